#include <gtest/gtest.h>

#include "tools/cli/json_writer.h"
#include "tools/cli/terminal_dialogs.h"

TEST(JsonWriter, NestsAndSeparates) {
    JsonWriter json;
    json.beginObject().key("a").value(1).key("list").beginArray().value("x").value(true).null().endArray();
    json.key("empty").beginObject().endObject().endObject();
    EXPECT_EQ(json.text(), R"({"a":1,"list":["x",true,null],"empty":{}})");
}

TEST(JsonWriter, EscapesWhatJsonCannotHoldRaw) {
    JsonWriter json;
    json.value(std::string_view("q\"b\\n\n\x01\xe9", 8));
    EXPECT_EQ(json.text(), R"("q\"b\\n\u000a\u0001\u00e9")");
}

TEST(TerminalText, MessagesBecomeOneLine) {
    EXPECT_EQ(oneLine("The current preset has been edited.\n\nDo you want to discard?"),
              "The current preset has been edited. Do you want to discard?");
    EXPECT_EQ(oneLine("  a\t b \n"), "a b");
}
