// Text boxes and the edit fields behind them: taking the keyboard, typing
// with its restrictions, the cursor keys, the history, scrolling and drawing.

#include "engine/base/QelVirtualKeys.h"
#include "game/ui/Edline.h"
#include "game/ui/UIControls.h"
#include "tests/game/ui/UITestFixture.h"

namespace {

using qeltest::DrawRecord;
namespace vk = qel::vk;

constexpr int kField = 30;

TEST(EdlineTest, a_new_field_is_empty_and_set_text_keeps_at_most_its_capacity)
{
    Edline field(kField, "gui-2", 5);
    EXPECT_EQ(field.text, "");
    EXPECT_EQ(field.cursor, 0);
    EXPECT_EQ(field.historyPosition, -1);
    EXPECT_EQ(field.minimum, 0);
    EXPECT_EQ(field.maximum, 10000);
    EXPECT_FALSE(field.digitsOnly || field.alphanumericOnly || field.password || field.changed);

    field.cursor = 3;
    field.changed = true;
    field.historyPosition = 4;
    field.SetText("ABCDEFGH");
    EXPECT_EQ(field.text, "ABCDE");
    EXPECT_EQ(field.cursor, 0);
    EXPECT_FALSE(field.changed);
    EXPECT_EQ(field.historyPosition, -1);
}

class UITextBoxTest : public UITest {
protected:
    // The box at (100, 100)-(300, 140): 194 pixels of text, 24 characters of the recording font.
    bool Draw(Edline& field, const std::string& placeholder = "Callsign")
    {
        bool answered = false;
        Frame([&] {
            ui.SetCurrentRectEdges(100, 100, 300, 140);
            answered = uiTextBox(theUIContext, placeholder, field, 1000);
        });
        return answered;
    }

    // What the field shows as its text (not the caption).
    DrawRecord Shown() const
    {
        for (const DrawRecord& record : graphics.Of(DrawRecord::Kind::Text))
            if (record.source == "DejaVuSans-Bold20" && record.text != "Callsign")
                return record;
        return DrawRecord{};
    }
};

TEST_F(UITextBoxTest, a_press_gives_the_box_the_keys_and_what_was_typed_before_is_not_its_to_take)
{
    Edline field(kField, "gui-2", 32);
    input.Type("wasd");  // flying the ship before the box was chosen
    input.KeyDown(vk::kLeft);
    input.MoveTo(150, 120);
    Draw(field);
    EXPECT_EQ(ui.hotId, kField);
    input.Press();
    EXPECT_FALSE(Draw(field));
    EXPECT_EQ(ui.textEntryOwner, kField);
    EXPECT_EQ(ui.activeId, 0);  // the box owns the keys, not the mouse

    input.Release();
    input.Type("Ab");
    EXPECT_TRUE(Draw(field));
    EXPECT_EQ(field.text, "Ab");
    EXPECT_EQ(field.cursor, 2);
    EXPECT_TRUE(field.changed);
    EXPECT_FALSE(Draw(field));  // nothing typed
}

TEST_F(UITextBoxTest, typing_follows_the_cursor_and_the_field_restrictions)
{
    enum Restriction { None, Digits, Alphanumeric };
    struct Case {
        const char* name;
        const char* before;
        int cursor;
        int capacity;
        Restriction restriction;
        std::vector<int32_t> characters;
        std::vector<int32_t> keys;  // cursor keys, taken after the characters
        const char* after;
        int cursorAfter;
        bool answered;
    };
    const Case cases[] = {
        {"inserts at the cursor", "abc", 1, 32, None, {'X', 'Y'}, {}, "aXYbc", 3, true},
        {"backspace deletes before the cursor", "abc", 2, 32, None, {8}, {}, "ac", 1, true},
        {"backspace at the start does nothing", "abc", 0, 32, None, {8}, {}, "abc", 0, false},
        {"left and right move the cursor", "abc", 3, 32, None, {}, {vk::kLeft, vk::kLeft, vk::kRight}, "abc", 2,
         false},
        {"home and end jump", "abc", 1, 32, None, {}, {vk::kEnd}, "abc", 3, false},
        {"the cursor stays inside the text", "abc", 0, 32, None, {}, {vk::kLeft, vk::kHome}, "abc", 0, false},
        {"a full text takes nothing at its end", "abcd", 4, 5, None, {'e'}, {}, "abcd", 4, false},
        {"typing inside a full text pushes its last character off", "abcd", 0, 5, None, {'e'}, {}, "eabc", 1,
         true},
        {"digits only refuses letters", "12", 2, 8, Digits, {'a'}, {}, "12", 2, false},
        {"digits only keeps the number within its maximum", "100", 3, 8, Digits, {'0', '0'}, {}, "1000", 4, true},
        {"letters and digits only refuses a space", "ab", 2, 8, Alphanumeric, {' ', '7'}, {}, "ab7", 3, true},
        {"control characters and non-ASCII are not typed", "ab", 2, 8, None, {9, 127, 0xE9}, {}, "ab", 2, false},
        {"enter keeps the text", "abc", 1, 32, None, {13}, {}, "abc", 1, true},
    };
    for (const Case& c : cases) {
        Edline field(kField, "gui-2", c.capacity);
        field.SetText(c.before);
        field.cursor = c.cursor;
        field.digitsOnly = c.restriction == Digits;
        field.maximum = 5000;
        field.alphanumericOnly = c.restriction == Alphanumeric;
        ui.textEntryOwner = kField;
        for (int32_t code : c.characters)
            input.TypeCode(code);
        for (int32_t key : c.keys)
            input.KeyDown(key);
        EXPECT_EQ(Draw(field), c.answered) << c.name;
        EXPECT_EQ(field.text, c.after) << c.name;
        EXPECT_EQ(field.cursor, c.cursorAfter) << c.name;
    }
}

TEST_F(UITextBoxTest, enter_pushes_the_text_into_the_history_newest_first_keeping_twenty_five_lines)
{
    Edline field(kField, "gui-2", 8);
    ui.textEntryOwner = kField;
    for (int i = 0; i < 30; ++i) {
        field.SetText("line" + std::to_string(i));
        input.TypeCode(13);
        Draw(field);
    }
    EXPECT_EQ(field.history[0], "line29");
    EXPECT_EQ(field.history[24], "line5");
    EXPECT_EQ(field.text, "line29");

    field.SetText("12345678");  // a full text goes into the history less its last character
    input.TypeCode(13);
    Draw(field);
    EXPECT_EQ(field.history[0], "1234567");
}

TEST_F(UITextBoxTest, a_field_its_owner_refreshes_every_frame_keeps_its_cursor)
{
    Edline field(kField, "gui-2", 32);
    std::string ownersText;  // what the owner keeps, copied back each frame as a retained screen does
    ui.textEntryOwner = kField;
    for (char c : std::string("Nova")) {
        field.SyncText(ownersText);
        input.TypeCode(c);
        if (Draw(field))
            ownersText = field.text;
    }
    EXPECT_EQ(field.text, "Nova");
    EXPECT_EQ(field.cursor, 4);

    field.SyncText("Vega");  // a text that differs does replace it
    EXPECT_EQ(field.text, "Vega");
    EXPECT_EQ(field.cursor, 0);
}

TEST_F(UITextBoxTest, an_empty_box_shows_its_placeholder_and_a_filled_one_shows_it_as_a_caption)
{
    Edline field(kField, "gui-2", 32);
    Draw(field);
    EXPECT_EQ(graphics.Texts(), std::vector<std::string>{"Callsign"});
    EXPECT_EQ(graphics.Text("Callsign").source, "DejaVuSans-Bold20");

    field.SetText("Nova");
    Draw(field);
    EXPECT_EQ(graphics.Text("Callsign").source, "DejaVuSans11");  // "smallest"
    EXPECT_EQ(Shown().text, "Nova");
    EXPECT_EQ(Shown().colour, ui.mainColour);
}

TEST_F(UITextBoxTest, a_password_field_shows_a_star_for_every_character)
{
    Edline field(kField, "gui-2", 32);
    field.password = true;
    field.SetText("secret");
    Draw(field);
    EXPECT_EQ(Shown().text, "******");
}

TEST_F(UITextBoxTest, a_long_text_scrolls_to_keep_the_cursor_in_the_box_and_shows_only_what_fits)
{
    Edline field(kField, "gui-2", 64);
    field.SetText("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");  // 36 characters; 24 fit
    field.cursor = 36;
    Draw(field);
    EXPECT_EQ(field.firstVisible, 12);
    EXPECT_EQ(Shown().text, "MNOPQRSTUVWXYZ0123456789");

    field.cursor = 5;  // back before the first visible character
    Draw(field);
    EXPECT_EQ(field.firstVisible, 5);
    EXPECT_EQ(Shown().text, "FGHIJKLMNOPQRSTUVWXYZ012");

    field.SetText("short");  // room again: back to the start
    field.firstVisible = 3;
    field.cursor = 5;
    Draw(field);
    EXPECT_EQ(field.firstVisible, 0);
}

TEST_F(UITextBoxTest, the_caret_blinks_ten_ticks_on_and_ten_off_while_the_box_has_the_keys)
{
    Edline field(kField, "gui-2", 32);
    field.SetText("abc");
    field.cursor = 2;
    auto caretDrawn = [&](int tick) {
        ui.tickCount = tick;
        Draw(field);
        for (const DrawRecord& line : graphics.Of(DrawRecord::Kind::Line))
            if (line.dest[0] == line.dest[2] && line.layer == 1002)
                return line.dest[0];
        return -1.0f;
    };
    EXPECT_EQ(caretDrawn(10), -1.0f);  // not the owner
    ui.textEntryOwner = kField;
    EXPECT_EQ(caretDrawn(5), -1.0f);
    EXPECT_FLOAT_EQ(caretDrawn(10), 103 + 2 * 8 + 0.5f);
    EXPECT_FLOAT_EQ(caretDrawn(19), 103 + 2 * 8 + 0.5f);
    EXPECT_EQ(caretDrawn(20), -1.0f);
}

}  // namespace
