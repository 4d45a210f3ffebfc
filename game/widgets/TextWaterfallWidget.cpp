#include "game/widgets/TextWaterfallWidget.h"

#include "engine/base/QelBitmapFont.h"
#include "game/ui/TextLog.h"
#include "game/ui/UIContext.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"

#include <algorithm>

namespace {

constexpr const glm::vec4 kPanelColour{0.0f, 0.0f, 0.0f, 0.8f};
constexpr int kTextLayer = 3000;
constexpr const char* kFont = "gui-1";
constexpr int32_t kMargin = 2;
constexpr int32_t kRowHeight = 20;
// Wrapping leaves room for the continuation indent and the margins.
constexpr int32_t kWrapAllowance = 34;
// Continuation pieces of a message start this much further right.
constexpr int32_t kIndent = 30;
constexpr const char* kEmptyHint = "No messages yet";

}  // namespace

void ViewTextWaterfallDraw(ConsoleState& console, IntRect& rect, std::string)
{
    UIContext& ui = console.UI();
    ui.FillRect(static_cast<float>(rect.left), static_cast<float>(rect.top), static_cast<float>(rect.right),
                static_cast<float>(rect.bottom), kPanelColour);
    if (theMessageLog.begin() == theMessageLog.end()) {
        DrawEmptyHint(ui, rect, kEmptyHint, kTextLayer);
        return;
    }
    QelBitmapFont* font = ui.GetFont(kFont);
    if (!font)
        return;
    // A box narrower than the allowance still wraps, one character a piece.
    const int32_t wrapWidth = std::max(1, rect.right - rect.left - kWrapAllowance);
    // Continuation pieces are indented as far as the box leaves room beside
    // them: a box narrower than the indent still shows every piece.
    const int32_t indent = std::clamp(rect.Width() - 2 * kMargin - wrapWidth, 0, kIndent);
    int32_t rowBottom = rect.bottom - kMargin;
    auto rowFits = [&] { return rowBottom - kRowHeight >= rect.top; };
    for (auto line = theMessageLog.end(); line != theMessageLog.begin() && rowFits();) {
        --line;
        if (line->text.empty()) {
            rowBottom -= kRowHeight;
            continue;
        }
        const std::vector<std::string> pieces = WrapText(*font, line->text, wrapWidth);
        for (size_t piece = pieces.size(); piece-- > 0 && rowFits();) {
            const int32_t left = rect.left + kMargin + (piece == 0 ? 0 : indent);
            ui.DrawText(font, {left, rowBottom - kRowHeight, rect.right - kMargin, rowBottom}, pieces[piece],
                        line->colour, kTextLayer, 0, TextFlow::kCutLine);
            rowBottom -= kRowHeight;
        }
    }
}
