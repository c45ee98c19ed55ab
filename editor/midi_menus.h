#pragma once

class CCMenuList;

// The menus of MIDI numbers shared by the setlist and MIDI tabs.

// "(undefined)" (0), then eight sub-lists "1 - 16" ... "113 - 128" of the
// programs 1-128 by number.
void buildProgramMenu(CCMenuList& menu);
// Four sub-lists of 32 controllers each: the 14-bit coarse and fine groups and
// two 7-bit groups; each item is "c:" followed by the controller's name (a fine
// controller takes its coarse partner's) or "(undefined)".
void buildControllerMenu(CCMenuList& menu);
