#include "platform/gtk/text_codec.h"

#include <glib.h>

std::string utf8FromToolkit(std::string_view text) {
    gsize written = 0;
    gchar* converted = g_convert(text.data(), static_cast<gssize>(text.size()), "UTF-8", "WINDOWS-1252",
                                 nullptr, &written, nullptr);
    if (converted == nullptr) {
        // Without the converter: the ASCII part as it is.
        std::string ascii(text);
        for (char& c : ascii)
            if (static_cast<unsigned char>(c) >= 0x80) c = '?';
        return ascii;
    }
    std::string out(converted, written);
    g_free(converted);
    return out;
}

std::string toolkitFromUtf8(std::string_view text) {
    gsize written = 0;
    gchar* converted = g_convert_with_fallback(text.data(), static_cast<gssize>(text.size()), "WINDOWS-1252",
                                               "UTF-8", "?", nullptr, &written, nullptr);
    if (converted == nullptr) return std::string(text);
    std::string out(converted, written);
    g_free(converted);
    return out;
}
