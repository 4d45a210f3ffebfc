#include "game/ui/KeyNames.h"

#include <iterator>
#include <map>

namespace {

constexpr KeyNameRow kKeyNames[] = {
    {"KEY_ABNT_C1", 0xC1}, {"KEY_ABNT_C2", 0xC2}, {"KEY_CONTROL", 0x11}, {"KEY_ADD", 0x6B},
    {"KEY_ATTN", 0xF6}, {"KEY_BACK", 0x08}, {"KEY_CANCEL", 0x03}, {"KEY_CLEAR", 0x0C},
    {"KEY_CRSEL", 0xF7}, {"KEY_DECIMAL", 0x6E}, {"KEY_DIVIDE", 0x6F}, {"KEY_EREOF", 0xF9},
    {"KEY_ESCAPE", 0x1B}, {"KEY_EXECUTE", 0x2B}, {"KEY_EXSEL", 0xF8}, {"KEY_ICO_CLEAR", 0xE6},
    {"KEY_ICO_HELP", 0xE3},
    {"KEY_0", 0x30}, {"KEY_1", 0x31}, {"KEY_2", 0x32}, {"KEY_3", 0x33}, {"KEY_4", 0x34},
    {"KEY_5", 0x35}, {"KEY_6", 0x36}, {"KEY_7", 0x37}, {"KEY_8", 0x38}, {"KEY_9", 0x39},
    {"KEY_A", 0x41}, {"KEY_B", 0x42}, {"KEY_C", 0x43}, {"KEY_D", 0x44}, {"KEY_E", 0x45},
    {"KEY_F", 0x46}, {"KEY_G", 0x47}, {"KEY_H", 0x48}, {"KEY_I", 0x49}, {"KEY_J", 0x4A},
    {"KEY_K", 0x4B}, {"KEY_L", 0x4C}, {"KEY_M", 0x4D}, {"KEY_N", 0x4E}, {"KEY_O", 0x4F},
    {"KEY_P", 0x50}, {"KEY_Q", 0x51}, {"KEY_R", 0x52}, {"KEY_S", 0x53}, {"KEY_T", 0x54},
    {"KEY_U", 0x55}, {"KEY_V", 0x56}, {"KEY_W", 0x57}, {"KEY_X", 0x58}, {"KEY_Y", 0x59},
    {"KEY_Z", 0x5A},
    {"KEY_MULTIPLY", 0x6A}, {"KEY_NONAME", 0xFC},
    {"KEY_NUMPAD0", 0x60}, {"KEY_NUMPAD1", 0x61}, {"KEY_NUMPAD2", 0x62}, {"KEY_NUMPAD3", 0x63},
    {"KEY_NUMPAD4", 0x64}, {"KEY_NUMPAD5", 0x65}, {"KEY_NUMPAD6", 0x66}, {"KEY_NUMPAD7", 0x67},
    {"KEY_NUMPAD8", 0x68}, {"KEY_NUMPAD9", 0x69},
    {"KEY_OEM_1", 0xBA}, {"KEY_OEM_102", 0xE2}, {"KEY_OEM_2", 0xBF}, {"KEY_OEM_3", 0xC0},
    {"KEY_OEM_4", 0xDB}, {"KEY_OEM_5", 0xDC}, {"KEY_OEM_6", 0xDD}, {"KEY_OEM_7", 0xDE},
    {"KEY_OEM_8", 0xDF}, {"KEY_OEM_ATTN", 0xF0}, {"KEY_OEM_AUTO", 0xF3}, {"KEY_OEM_AX", 0xE1},
    {"KEY_OEM_BACKTAB", 0xF5}, {"KEY_OEM_CLEAR", 0xFE}, {"KEY_OEM_COMMA", 0xBC}, {"KEY_OEM_COPY", 0xF2},
    {"KEY_OEM_CUSEL", 0xEF}, {"KEY_OEM_ENLW", 0xF4}, {"KEY_OEM_FINISH", 0xF1}, {"KEY_OEM_FJ_LOYA", 0x95},
    {"KEY_OEM_FJ_MASSHOU", 0x93}, {"KEY_OEM_FJ_ROYA", 0x96}, {"KEY_OEM_FJ_TOUROKU", 0x94},
    {"KEY_OEM_JUMP", 0xEA}, {"KEY_OEM_MINUS", 0xBD}, {"KEY_OEM_PA1", 0xEB}, {"KEY_OEM_PA2", 0xEC},
    {"KEY_OEM_PA3", 0xED}, {"KEY_OEM_PERIOD", 0xBE}, {"KEY_OEM_PLUS", 0xBB}, {"KEY_OEM_RESET", 0xE9},
    {"KEY_OEM_WSCTRL", 0xEE}, {"KEY_PA1", 0xFD}, {"KEY_PACKET", 0xE7}, {"KEY_PLAY", 0xFA},
    {"KEY_PROCESSKEY", 0xE5}, {"KEY_RETURN", 0x0D}, {"KEY_SELECT", 0x29}, {"KEY_SEPARATOR", 0x6C},
    {"KEY_SPACE", 0x20}, {"KEY_SUBTRACT", 0x6D}, {"KEY_TAB", 0x09}, {"KEY_ZOOM", 0xFB},
    {"KEY__none_", 0xFF},
    {"KEY_ACCEPT", 0x1E}, {"KEY_APPS", 0x5D}, {"KEY_BROWSER_BACK", 0xA6}, {"KEY_BROWSER_FAVORITES", 0xAB},
    {"KEY_BROWSER_FORWARD", 0xA7}, {"KEY_BROWSER_HOME", 0xAC}, {"KEY_BROWSER_REFRESH", 0xA8},
    {"KEY_BROWSER_SEARCH", 0xAA}, {"KEY_BROWSER_STOP", 0xA9}, {"KEY_CAPITAL", 0x14}, {"KEY_CONVERT", 0x1C},
    {"KEY_DELETE", 0x2E}, {"KEY_DOWN", 0x28}, {"KEY_END", 0x23},
    {"KEY_F1", 0x70}, {"KEY_F10", 0x79}, {"KEY_F11", 0x7A}, {"KEY_F12", 0x7B}, {"KEY_F13", 0x7C},
    {"KEY_F14", 0x7D}, {"KEY_F15", 0x7E}, {"KEY_F16", 0x7F}, {"KEY_F17", 0x80}, {"KEY_F18", 0x81},
    {"KEY_F19", 0x82}, {"KEY_F2", 0x71}, {"KEY_F20", 0x83}, {"KEY_F21", 0x84}, {"KEY_F22", 0x85},
    {"KEY_F23", 0x86}, {"KEY_F24", 0x87}, {"KEY_F3", 0x72}, {"KEY_F4", 0x73}, {"KEY_F5", 0x74},
    {"KEY_F6", 0x75}, {"KEY_F7", 0x76}, {"KEY_F8", 0x77}, {"KEY_F9", 0x78},
    {"KEY_FINAL", 0x18}, {"KEY_HELP", 0x2F}, {"KEY_HOME", 0x24}, {"KEY_ICO_00", 0xE4},
    {"KEY_INSERT", 0x2D}, {"KEY_JUNJA", 0x17}, {"KEY_KANA", 0x15}, {"KEY_KANJI", 0x19},
    {"KEY_LAUNCH_APP1", 0xB6}, {"KEY_LAUNCH_APP2", 0xB7}, {"KEY_LAUNCH_MAIL", 0xB4},
    {"KEY_LAUNCH_MEDIA_SELECT", 0xB5}, {"KEY_LBUTTON", 0x01}, {"KEY_LEFT", 0x25}, {"KEY_LMENU", 0xA4},
    {"KEY_SHIFT", 0x10}, {"KEY_LWIN", 0x5B}, {"KEY_MBUTTON", 0x04}, {"KEY_MEDIA_NEXT_TRACK", 0xB0},
    {"KEY_MEDIA_PLAY_PAUSE", 0xB3}, {"KEY_MEDIA_PREV_TRACK", 0xB1}, {"KEY_MEDIA_STOP", 0xB2},
    {"KEY_MODECHANGE", 0x1F}, {"KEY_NEXT", 0x22}, {"KEY_NONCONVERT", 0x1D}, {"KEY_NUMLOCK", 0x90},
    {"KEY_OEM_FJ_JISHO", 0x92}, {"KEY_PAUSE", 0x13}, {"KEY_PRINT", 0x2A}, {"KEY_PRIOR", 0x21},
    {"KEY_RBUTTON", 0x02}, {"KEY_RIGHT", 0x27}, {"KEY_RMENU", 0xA5}, {"KEY_RWIN", 0x5C},
    {"KEY_SCROLL", 0x91}, {"KEY_SLEEP", 0x5F}, {"KEY_SNAPSHOT", 0x2C}, {"KEY_UP", 0x26},
    {"KEY_VOLUME_DOWN", 0xAE}, {"KEY_VOLUME_MUTE", 0xAD}, {"KEY_VOLUME_UP", 0xAF},
    {"KEY_XBUTTON1", 0x05}, {"KEY_XBUTTON2", 0x06}, {"KEY_PAGE_UP", 0x21}, {"KEY_PAGE_DOWN", 0x22},
};
// The hot-key file lists exactly these, four to a line.
static_assert(std::size(kKeyNames) == 192, "the key-name table has 192 rows");

struct KeyNameMaps {
    std::map<std::string, int32_t> tagToCode;
    std::map<int32_t, std::string> codeToTag;
};

// Filled in table order, so where two tags share a code the later one names it.
KeyNameMaps BuildKeyNameMaps()
{
    KeyNameMaps maps;
    for (const KeyNameRow& row : kKeyNames) {
        maps.tagToCode[row.tag] = row.code;
        maps.codeToTag[row.code] = row.tag;
    }
    return maps;
}

const KeyNameMaps& Maps()
{
    static const KeyNameMaps maps = BuildKeyNameMaps();
    return maps;
}

}  // namespace

std::span<const KeyNameRow> KeyNameTable()
{
    return kKeyNames;
}

int32_t keyTagToCode(const std::string& tag)
{
    const auto found = Maps().tagToCode.find(tag);
    return found == Maps().tagToCode.end() ? 0 : found->second;
}

const std::string& keyCodeToTag(int32_t code)
{
    static const std::string none;
    const auto found = Maps().codeToTag.find(code);
    return found == Maps().codeToTag.end() ? none : found->second;
}
