#pragma once

#include <string>
#include <string_view>

// The toolkit's texts are 8-bit Windows-1252; GTK's are UTF-8.
std::string utf8FromToolkit(std::string_view text);
// Characters with no 8-bit form become '?'.
std::string toolkitFromUtf8(std::string_view text);
