// Style strings and the retained-GUI descriptors built from them: what a
// mission's script passes in. Any text parses into entries that each hold a
// key and at least one value, walked in order; a widget described by them is
// placed in a console's retained GUI, built, hidden and listed.

#include "fuzz/support/FuzzProcess.h"
#include "game/guimodel/KeyValueParser.h"
#include "game/guimodel/RetainedGUIManager.h"
#include "game/guimodel/RetainedGUIWidget.h"

#include <cstdlib>
#include <string>

namespace {

constexpr const char* kContext = "fuzz_style";

void CheckEntries(KeyValueParser& parser)
{
    const size_t count = parser.Entries().size();
    QEL_FUZZ_CHECK(count >= 1 && parser.Entries()[0] == KeyValueParser::Entry({"empty", "empty"}),
                   "a parse does not begin with the placeholder entry");
    for (const KeyValueParser::Entry& entry : parser.Entries())
        QEL_FUZZ_CHECK(entry.size() >= 2, "an entry has no value");
    size_t walked = 0;
    while (!parser.NextEntry().empty() || walked < count) {
        QEL_FUZZ_CHECK(++walked <= count, "the walk yields more entries than the parse made");
    }
}

float Number(KeyValueParser& parser, const char* key)
{
    return std::strtof(parser.Get(kContext, key, "a number").c_str(), nullptr);
}

// A widget as the retained-GUI script functions describe one: its texts and
// rectangle from the style's keys.
RetainedGUIWidget Describe(KeyValueParser& parser, const std::string& style)
{
    RetainedGUIWidget widget;
    widget.tag = parser.Get(kContext, "tag", "the widget's tag");
    widget.parentTag = parser.Get(kContext, "parent", "the parent's tag");
    widget.kind = parser.Get(kContext, "kind", "the widget's kind");
    widget.text = parser.Get(kContext, "text", "the label");
    widget.color = parser.Get(kContext, "color", "the colour");
    widget.font = parser.Get(kContext, "font", "the font tag");
    widget.style = style;
    widget.left = Number(parser, "left");
    widget.top = Number(parser, "top");
    widget.right = Number(parser, "right");
    widget.bottom = Number(parser, "bottom");
    int32_t low = 0, high = 0;
    parser.Get(kContext, "range", "slider bounds");
    parser.GetIntRange(low, high);
    QEL_FUZZ_CHECK(low <= high, "an integer range comes back the wrong way round");
    widget.low = static_cast<float>(low);
    widget.high = static_cast<float>(high);
    return widget;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string style(reinterpret_cast<const char*>(data), size);
    KeyValueParser parser;
    parser.Parse(style);
    CheckEntries(parser);
    RetainedGUIWidget widget = Describe(parser, style);
    const std::string tag = widget.tag;
    RetainedGUIManager gui;
    gui.SetBuilding(true, "");
    gui.AddWidget(widget);
    gui.AddWidget(std::move(widget));
    gui.SetBuilding(false, "");
    gui.SetHidden(tag, false);
    gui.DumpTree("fuzz", true);
    return 0;
}
