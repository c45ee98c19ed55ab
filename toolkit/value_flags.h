#pragma once

// How a control's value change travels, named at each call:
// setValue(v, Notify::no, Redraw::yes, SelfOnly::no).
// Notify: the control reports the change to its listener (a 514).
enum class Notify : bool { no = false, yes = true };
// Redraw: the control invalidates itself.
enum class Redraw : bool { no = false, yes = true };
// SelfOnly: the redraw reaches the control's own chain only, not the page.
enum class SelfOnly : bool { no = false, yes = true };
// Force: an unchanged value is applied and reported all the same.
enum class Force : bool { no = false, yes = true };
