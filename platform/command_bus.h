#pragma once

// The editor's interface on the session bus, through which tovan-cli hands it
// a command for a pedal the editor holds. It sits on the application object
// (the bus name is the application id), beside GApplication's own interfaces.
// Output and errors travel as bytes: preset names are 8-bit text.

namespace tovan::bus {

inline constexpr const char* kEditorName = "com.plavik.Tovan";
inline constexpr const char* kEditorPath = "/com/plavik/Tovan";
inline constexpr const char* kCommandInterface = "com.plavik.Tovan.Pedal";
inline constexpr const char* kRunCommand = "RunCommand";

inline constexpr const char* kCommandIntrospection = "<node>"
                                                     "  <interface name='com.plavik.Tovan.Pedal'>"
                                                     "    <method name='RunCommand'>"
                                                     "      <arg type='as' name='arguments' direction='in'/>"
                                                     "      <arg type='s' name='pedal' direction='in'/>"
                                                     "      <arg type='ay' name='output' direction='out'/>"
                                                     "      <arg type='ay' name='errors' direction='out'/>"
                                                     "      <arg type='i' name='status' direction='out'/>"
                                                     "    </method>"
                                                     "  </interface>"
                                                     "</node>";

} // namespace tovan::bus
