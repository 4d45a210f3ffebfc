#include "game/script/ScriptWidgetMembers.h"

#include "game/guimodel/KeyValueParser.h"
#include "helper/GeneralUtils.h"

namespace {

using Parser = KeyValueParser;
using Widget = RetainedGUIWidget;

// The documentation texts of the keys, as the style-string documentation
// lists them.
constexpr const char* kColourDoc = "optional. text color tag.";
constexpr const char* kSourceRectDoc =
    "optional: four comma-seperated floats, defining the box of the source image sub-rectangle "
    "(left,top,right,bottom)";

// "text", "font", "color", "draw_layer" and "pixel_aligned", in this order,
// replacing what the fields held.
void ApplyWidgetStyle(Parser& style, const char* context, Widget& w)
{
    w.text = style.Get(context, "text", "the text shown in the widget.");
    w.font = style.Get(context, "font", "optional. font tag from preferences.json");
    w.color = style.Get(context, "color", kColourDoc);
    w.layer = LeadingInt(style.Get(context, "draw_layer", "optional int, draw order value (default is 1001)."));
    w.absolute = IsOnWord(style.Get(
        context, "pixel_aligned",
        "optional flag; means that the percentBox is actually pixel dimensions.  on,yes,True,active."));
}

// ---- the members' own keys ----

// A typein shows its text unless "password" asks for asterisks.
void ReadTypeinKeys(Parser& style, const char* context, Widget& w)
{
    w.data = style.Get(context, "desc", "the prompt text shown in the widget.");
    const std::string password =
        style.Get(context, "password", "flag to show only asterisks, for privacy: yes, on, True");
    w.ticked = !(password == "yes" || password == "on" || password == "True");
}

// Every value of "list", each followed by '^'; none without the key.
void ReadDropdownKeys(Parser& style, const char* context, Widget& w)
{
    style.Get(context, "list", "list of the drop down item names, seperated by commas.");
    const Parser::Entry& entry = style.CurrentValues();
    for (size_t i = 1; i < entry.size(); ++i)
        w.data += entry[i] + '^';
}

void ReadSliderKeys(Parser& style, const char* context, Widget& w)
{
    w.low = LeadingFloat(style.Get(context, "low", "float, lowest value of this slider."));
    w.high = LeadingFloat(style.Get(context, "high", "float, lowest value of this slider."));
    w.data = style.Get(context, "text", "optional. int,float, or a literal string");
}

void ReadTextKeys(Parser& style, const char* context, Widget& w)
{
    constexpr int32_t kLeft = 0, kCentred = 1, kRight = 2;
    const std::string justify = style.Get(context, "justify", "optional. text justification; left, right, center.");
    w.index = justify == "center" ? kCentred : justify == "right" ? kRight : kLeft;
}

// The hull replaces whatever "text" gave.
void ReadShipKeys(Parser& style, const char* context, Widget& w)
{
    w.text = style.Get(context, "hull_tag", "the hull tag of the 3d object shown, from the ship_data.json file.");
}

void ReadCheckboxKeys(Parser& style, const char* context, Widget& w)
{
    w.ticked = IsOnWord(style.Get(context, "state", "flag for the state: on,yes,True,active."));
}

void ReadColourKey(Parser& style, const char* context, Widget& w)
{
    w.color = style.Get(context, "color", kColourDoc);
}

void ReadIconKeys(Parser& style, const char* context, Widget& w)
{
    ReadColourKey(style, context, w);
    w.index = LeadingInt(style.Get(context, "icon_index", "integer; index into the icon set (grid-icon-sheet.png)"));
}

// The single source edges, unless "sub_rect" gives all four.
void ReadImageKeys(Parser& style, const char* context, Widget& w)
{
    constexpr size_t kEdges = 4;
    ReadColourKey(style, context, w);
    w.data = style.Get(context, "image",
                       "filename of image to display.  do not include the .PNG suffix.  Filepath is relative to "
                       "the data/graphics folder.");
    w.srcLeft = LeadingFloat(style.Get(context, "sub_left", "optional float: sub-rect left of the source image"));
    w.srcTop = LeadingFloat(style.Get(context, "sub_top", "optional float: sub-rect top of the source image"));
    w.srcRight = LeadingFloat(style.Get(context, "sub_right", "optional float: sub-rect right of the source image"));
    w.srcBottom =
        LeadingFloat(style.Get(context, "sub_bottom", "optional float: sub-rect bottom of the source image"));
    style.Get(context, "sub_rect", kSourceRectDoc);
    const Parser::Entry& entry = style.CurrentValues();
    if (entry.size() < 1 + kEdges)
        return;
    float* edges[kEdges] = {&w.srcLeft, &w.srcTop, &w.srcRight, &w.srcBottom};
    for (size_t i = 0; i < kEdges; ++i)
        *edges[i] = LeadingFloat(entry[1 + i]);
}

void ReadClickRegionKeys(Parser& style, const char* context, Widget& w)
{
    w.data = style.Get(context, "background_color", "optional. color tag for the whole rectangle of the click region.");
}

}  // namespace

namespace rk = retained_kind;

const std::array<ScriptWidgetMember, 17> kScriptWidgetMembers = {{
    {"send_gui_sub_region", "Creates a subregion GUI element, on the targeted client (0 = server screen)",
     "send_gui_subregion", rk::kSubregion, true, nullptr, nullptr},
    {"send_gui_button", "Creates a button GUI element, on the targeted client (0 = server screen)", "send_gui_button",
     rk::kButton, true, nullptr, nullptr},
    {"send_gui_typein", "Creates a text entry GUI element, on the targeted client (0 = server screen)",
     "send_gui_typein", rk::kTypein, true, ReadTypeinKeys, nullptr},
    {"send_gui_dropdown", "Creates a dropdown GUI element, on the targeted client (0 = server screen)",
     "send_gui_dropdown", rk::kDropdown, true, nullptr, ReadDropdownKeys},
    {"send_gui_slider",
     "Creates a slider bar GUI element, on the targeted client (0 = server screen) (long clientID, std::string tag, "
     "float low, float high, float current, float left, float top, float right, float bottom, bool showNumberFlag)\n"
     "the arguments are the signature's: the slider's ends are the style's keys \"low\" and \"high\" (0 when "
     "absent), its text the key \"text\"; use: zmx.send_gui_slider(0, \"panel\", \"warp\", 25, "
     "\"low:0;high:100\", 0, 70, 100, 80)",
     "send_gui_slider", rk::kSlider, true, ReadSliderKeys, nullptr},
    {"send_gui_text", "Creates a text box GUI element, on the targeted client (0 = server screen)", "send_gui_text",
     rk::kText, true, ReadTextKeys, nullptr},
    {"send_gui_3dship", "Creates a 3D ship box GUI element, on the targeted client (0 = server screen)",
     "send_gui_3dship", rk::kShip3D, true, nullptr, ReadShipKeys},
    {"send_gui_face", "Creates a face box GUI element, on the targeted client (0 = server screen)", "send_gui_face",
     rk::kFace, false, nullptr, nullptr},
    {"send_gui_checkbox", "Creates a checkbox GUI element, on the targeted client (0 = server screen)",
     "send_gui_checkbox", rk::kCheckbox, true, ReadCheckboxKeys, nullptr},
    {"send_gui_icon", "Creates an icon art GUI element, on the targeted client (0 = server screen)", "send_gui_icon",
     rk::kIcon, true, ReadIconKeys, nullptr},
    {"send_gui_image", "Creates a 2d art image GUI element, on the targeted client (0 = server screen)",
     "send_gui_image", rk::kBitmap, true, ReadImageKeys, nullptr},
    {"send_gui_rawiconbutton",
     "Creates a simple clickable icon GUI element, on the targeted client (0 = server screen)",
     "send_gui_rawiconbutton", rk::kRawIconButton, true, ReadIconKeys, nullptr},
    {"send_gui_clickregion", "Creates a click-region GUI element, on the targeted client (0 = server screen)",
     "send_gui_clickregion", rk::kClickRegion, true, ReadClickRegionKeys, nullptr},
    {"send_gui_iconbutton", "Creates an icon-button GUI element, on the targeted client (0 = server screen)",
     "send_gui_iconbutton", rk::kIconButton, true, ReadIconKeys, nullptr},
    {"send_gui_iconcheckbox", "Creates an icon-checkbox GUI element, on the targeted client (0 = server screen)",
     "send_gui_iconcheckbox", rk::kIconCheckbox, true, ReadIconKeys, nullptr},
    {"send_gui_colorbutton", "Creates a color button GUI element, on the targeted client (0 = server screen)",
     "send_gui_colorbutton", rk::kColorButton, true, ReadColourKey, nullptr},
    {"send_gui_colorcheckbox", "Creates a color checkbox GUI element, on the targeted client (0 = server screen)",
     "send_gui_colorcheckbox", rk::kColorCheckbox, true, ReadColourKey, nullptr},
}};

// A text widget's style is read as Latin-1, the one member that folds its
// accented letters so its text draws them.
RetainedGUIWidget BuildScriptWidget(const ScriptWidgetMember& member, const ScriptWidgetPlace& place,
                                    const std::string& style)
{
    Widget w;
    w.kind = member.kind;
    w.parentTag = place.parentTag;
    w.tag = place.tag;
    w.left = place.rect[0];
    w.top = place.rect[1];
    w.right = place.rect[2];
    w.bottom = place.rect[3];
    if (!member.styled) {
        w.text = style;
        return w;
    }
    Parser& parser = Parser::Global();
    const bool latin1 = std::string_view(member.kind) == rk::kText;
    parseStyleString(parser, latin1 ? FoldUtf8ToLatin1(style) : style);
    if (member.before)
        member.before(parser, member.context, w);
    ApplyWidgetStyle(parser, member.context, w);
    if (member.after)
        member.after(parser, member.context, w);
    return w;
}
