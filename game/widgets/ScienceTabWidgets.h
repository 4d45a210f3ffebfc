#pragma once
// The rest of the science console around "science_data":
//   "science_data_tabs"   the kinds of scan the selection offers, as tabs that
//                         choose the console's kind of scan (hot keys
//                         "scan_type_prev" Insert, "scan_type_next" Delete);
//                         only "scan" until the initial scan is done;
//   "science_data_freq"   once the kind of scan that reveals them is done on
//                         a computer ship, its shield strength on each of the
//                         frequencies A to E, the weakest marked "weak";
//   "science_sorted_list" the object list (SortedObjectList.h) that selects
//                         into "science_target_UID".

#include "game/ui/IntRect.h"

#include <cstdint>
#include <string>

class UIContext;

class ConsoleState;

void ViewScienceDataTabsDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewScienceDataFreqDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewScienceSortedListDraw(ConsoleState& console, IntRect& rect, std::string widgetName);

// One frequency's column: strength 0..100 as four flickering bars, red at 0
// and green at 100, under the frequency's letter, which pulses as "weak"
// when the frequency is the weakest found by the last drawing (-1 none).
void ViewScienceDataFreqDrawBody(UIContext& ui, int32_t frequency, int32_t strength, const IntRect& column,
                                 int32_t weakest);
