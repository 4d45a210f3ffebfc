#include "game/widgets/TextWaterfallWidget.h"

#include "engine/base/QelBitmapFont.h"
#include "game/shell/TextLog.h"
#include "game/shell/UIContext.h"

#include <glm/gtc/type_ptr.hpp>

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

}  // namespace

void ViewTextWaterfallDraw(IntRect& rect, std::string)
{
    UIContext& ui = theUIContext;
    ui.FillRect(static_cast<float>(rect.left), static_cast<float>(rect.top), static_cast<float>(rect.right),
                static_cast<float>(rect.bottom), kPanelColour);
    QelBitmapFont* font = ui.GetFont(kFont);
    if (!font)
        return;
    // A box narrower than the allowance still wraps, one character a piece.
    const int32_t wrapWidth = std::max(1, rect.right - rect.left - kWrapAllowance);
    int32_t rowBottom = rect.bottom - kMargin;
    auto rowFits = [&] { return rowBottom - kRowHeight >= rect.top; };
    for (auto line = theMessageLog.end(); line != theMessageLog.begin() && rowFits();) {
        --line;
        if (line->text.empty()) {
            rowBottom -= kRowHeight;
            continue;
        }
        font->LayoutText(line->text, wrapWidth);
        const std::vector<std::string> pieces = font->LaidOutLines();
        for (size_t piece = pieces.size(); piece-- > 0 && rowFits();) {
            const int32_t left = rect.left + kMargin + (piece == 0 ? 0 : kIndent);
            font->SetTextRect(left, rowBottom - kRowHeight, rect.right - kMargin, rowBottom);
            font->DrawTextLeft(pieces[piece], glm::value_ptr(line->colour), kTextLayer);
            rowBottom -= kRowHeight;
        }
    }
}
