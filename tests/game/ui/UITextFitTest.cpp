// How a text is made to fit its box: whole words on a line, a smaller face
// before a word is split, a cut word or dropped lines only at the smallest
// face; and the report that finds texts over each other or out of their box.

#include "game/ui/UITextFit.h"

#include "engine/base/QelBitmapFont.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// A face of a pixel size: every character half the size wide, lines the size apart.
class SizedFont : public QelBitmapFont {
public:
    explicit SizedFont(int size) : size_(size) {}

    void SetTextRect(int, int, int, int) override {}
    void SetTextRectFrom(const QelRect&) override {}
    void DrawTextLeft(std::string, const float[4], int) override {}
    void DrawTextRight(std::string, const float[4], int) override {}
    void DrawTextCentered(std::string, const float[4], int) override {}
    void SetSingleLine() override {}
    int LayoutText(std::string, int) override { return size_; }
    const std::vector<std::string>& LaidOutLines() const override { return lines_; }
    int GetTextWidth(std::string text) override { return static_cast<int>(text.size()) * (size_ / 2); }
    int GetTextHeight(std::string) override { return size_; }
    int GetLineHeight() override { return size_; }
    int GetLineStep() override { return size_; }
    int GetAscent() override { return size_; }
    int GetDescent() override { return 0; }

    int Size() const { return size_; }

private:
    int size_;
    std::vector<std::string> lines_;
};

// The faces of one family, each stepping down to the next size of the table.
class Family {
public:
    SizedFont& Face(int size)
    {
        std::unique_ptr<SizedFont>& face = faces_[size];
        if (!face)
            face = std::make_unique<SizedFont>(size);
        return *face;
    }
    SmallerFace Smaller()
    {
        return [this](QelBitmapFont* font) -> QelBitmapFont* {
            const int size = static_cast<SizedFont*>(font)->Size();
            for (int next : kFitSizes)
                if (next < size)
                    return &Face(next);
            return nullptr;
        };
    }

private:
    std::map<int, std::unique_ptr<SizedFont>> faces_;
};

TEST(UITextFitTest, a_text_steps_down_its_face_before_a_word_is_split_and_is_cut_only_at_the_smallest)
{
    struct Case {
        const char* what;
        std::string text;
        IntRect box;
        TextFlow flow;
        int size;  // the face it is drawn in
        std::vector<std::string> lines;
        bool shortened;
    };
    const Case cases[] = {
        {"fits as given", "FRONT SHIELD", {0, 0, 100, 20}, TextFlow::kWrap, 16, {"FRONT SHIELD"}, false},
        {"wraps between words where the box is tall enough", "FRONT SHIELD", {0, 0, 60, 40}, TextFlow::kWrap, 16,
         {"FRONT", "SHIELD"}, false},
        {"a word wider than the box: a smaller face, never IMPUL/SE", "IMPULSE", {0, 0, 50, 40}, TextFlow::kWrap, 14,
         {"IMPULSE"}, false},
        {"a percent sign stays with its number", "100 %", {0, 0, 29, 40}, TextFlow::kWrap, 11, {"100 %"}, false},
        {"one line asked for: smaller, then dropped words marked", "Halcyon Station", {0, 0, 64, 40},
         TextFlow::kOneLine, 10, {"Halcyon..."}, true},
        {"a word too wide even at the smallest face is cut", "Skarnraiderwithverylongname", {0, 0, 40, 16},
         TextFlow::kWrap, 10, {"Skarnra."}, true},
        {"a preview keeps its face and is cut short", "Halcyon Station", {0, 0, 100, 16}, TextFlow::kCutLine, 16,
         {"Halcyon..."}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Family family;
        const FittedText fitted = FitText(family.Face(16), c.box, c.text, c.flow, family.Smaller());
        ASSERT_NE(fitted.font, nullptr);
        EXPECT_EQ(static_cast<SizedFont*>(fitted.font)->Size(), c.size);
        EXPECT_EQ(fitted.lines, c.lines);
        EXPECT_EQ(fitted.shortened, c.shortened);
        EXPECT_FALSE(fitted.overflowed);
        const IntRect ink = FittedInk(fitted, c.box, 0);
        EXPECT_LE(ink.right, c.box.right);
        EXPECT_LE(ink.bottom, c.box.bottom);
    }
}

TEST(UITextFitTest, a_log_line_wraps_between_words_and_breaks_only_a_word_wider_than_the_line)
{
    SizedFont font(16);  // 8 pixels a character
    EXPECT_EQ(WrapText(font, "Halcyon Station: patrol", 80),
              (std::vector<std::string>{"Halcyon", "Station:", "patrol"}));
    EXPECT_EQ(WrapText(font, "abcdefghijklmnopqrstu vw", 80),
              (std::vector<std::string>{"abcdefghij", "klmnopqrst", "u vw"}))
        << "nothing of the long word is lost";
    EXPECT_EQ(WrapText(font, "one^two", 80), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(WrapText(font, "ab", 1), (std::vector<std::string>{"a", "b"})) << "no empty piece after the last";
}

TEST(UITextFitTest, a_box_lower_than_the_smallest_line_is_reported_as_overflowing)
{
    Family family;
    const FittedText fitted = FitText(family.Face(16), {0, 0, 200, 6}, "SPD 0.00", TextFlow::kOneLine, family.Smaller());
    EXPECT_TRUE(fitted.overflowed);
    EXPECT_EQ(fitted.lines, std::vector<std::string>{"SPD 0.00"});

    // A number too wide is kept whole rather than cut into one that reads as another.
    const FittedText number = FitText(family.Face(16), {0, 0, 30, 16}, "100000000%", TextFlow::kOneLine, family.Smaller());
    EXPECT_EQ(number.lines, std::vector<std::string>{"100000000%"});
    EXPECT_TRUE(number.overflowed);
}

TEST(UITextFitTest, centred_lines_take_the_middle_of_their_box)
{
    Family family;
    const FittedText fitted = FitText(family.Face(16), {0, 0, 100, 100}, "FRONT SHIELD", TextFlow::kWrap, family.Smaller());
    // 96 pixels of line, 16 high, about the middle.
    EXPECT_EQ(FittedInk(fitted, {0, 0, 100, 100}, 2), (IntRect{2, 42, 98, 58}));
    EXPECT_EQ(FittedInk(fitted, {0, 0, 100, 100}, 1), (IntRect{4, 0, 100, 16}));
}

TEST(UITextFitTest, the_report_finds_texts_over_each_other_on_one_surface_and_texts_out_of_their_box)
{
    TextRunReport report;
    report.Add({"lost", "", {0, 0, 10, 10}, {0, 0, 10, 10}, 0, false, false});
    EXPECT_TRUE(report.runs.empty()) << "kept only while recording";

    report.recording = true;
    report.Add({"<com", "", {0, 0, 100, 20}, {60, 0, 100, 16}, 0, false, false});
    report.Add({"(civil)", "", {0, 0, 100, 20}, {0, 0, 70, 16}, 0, false, false});
    report.Add({"edge to edge", "", {100, 0, 200, 20}, {100, 0, 150, 16}, 0, false, false});
    report.Add({"on the radar", "radar", {0, 0, 100, 20}, {0, 0, 100, 16}, 0, false, false});
    report.Add({"SPD 0.00", "", {0, 30, 100, 34}, {0, 30, 64, 46}, 0, true, true});
    const auto overlaps = report.Overlaps();
    ASSERT_EQ(overlaps.size(), 1u) << "edges that only touch, and other surfaces, are apart";
    EXPECT_EQ(overlaps[0], std::make_pair(size_t{0}, size_t{1}));
    const std::string faults = report.Faults();
    EXPECT_NE(faults.find("overlap: \"<com\""), std::string::npos) << faults;
    EXPECT_NE(faults.find("leaves its box: \"SPD 0.00\""), std::string::npos) << faults;
    EXPECT_EQ(faults.find("on the radar"), std::string::npos) << faults;
}

}  // namespace
