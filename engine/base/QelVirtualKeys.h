#pragma once
// Windows virtual-key numbers: the key codes of the whole game. Hot-key files
// and key tables store these numbers, so they must never change.

#include <cstdint>

namespace qel::vk {

constexpr int32_t kBack = 0x08;
constexpr int32_t kTab = 0x09;
constexpr int32_t kReturn = 0x0D;
constexpr int32_t kShift = 0x10;
constexpr int32_t kControl = 0x11;
constexpr int32_t kMenu = 0x12;  // Alt
constexpr int32_t kPause = 0x13;
constexpr int32_t kCapital = 0x14;  // Caps Lock
constexpr int32_t kEscape = 0x1B;
constexpr int32_t kSpace = 0x20;
constexpr int32_t kPrior = 0x21;  // Page Up
constexpr int32_t kNext = 0x22;   // Page Down
constexpr int32_t kEnd = 0x23;
constexpr int32_t kHome = 0x24;
constexpr int32_t kLeft = 0x25;
constexpr int32_t kUp = 0x26;
constexpr int32_t kRight = 0x27;
constexpr int32_t kDown = 0x28;
constexpr int32_t kSnapshot = 0x2C;  // Print Screen
constexpr int32_t kInsert = 0x2D;
constexpr int32_t kDelete = 0x2E;
constexpr int32_t kDigit0 = 0x30;  // '0'..'9' follow in order
constexpr int32_t kLetterA = 0x41; // 'A'..'Z' follow in order
constexpr int32_t kLeftWindows = 0x5B;
constexpr int32_t kRightWindows = 0x5C;
constexpr int32_t kApps = 0x5D;
constexpr int32_t kNumpad0 = 0x60;  // numpad '0'..'9' follow in order
constexpr int32_t kMultiply = 0x6A;
constexpr int32_t kAdd = 0x6B;
constexpr int32_t kSubtract = 0x6D;
constexpr int32_t kDecimal = 0x6E;
constexpr int32_t kDivide = 0x6F;
constexpr int32_t kF1 = 0x70;  // F1..F24 follow in order
constexpr int32_t kNumLock = 0x90;
constexpr int32_t kScrollLock = 0x91;
constexpr int32_t kOemSemicolon = 0xBA;
constexpr int32_t kOemPlus = 0xBB;
constexpr int32_t kOemComma = 0xBC;
constexpr int32_t kOemMinus = 0xBD;
constexpr int32_t kOemPeriod = 0xBE;
constexpr int32_t kOemSlash = 0xBF;
constexpr int32_t kOemBacktick = 0xC0;
constexpr int32_t kOemOpenBracket = 0xDB;
constexpr int32_t kOemBackslash = 0xDC;
constexpr int32_t kOemCloseBracket = 0xDD;
constexpr int32_t kOemQuote = 0xDE;
constexpr int32_t kOem102 = 0xE2;  // the extra key beside left Shift on ISO keyboards

}  // namespace qel::vk
