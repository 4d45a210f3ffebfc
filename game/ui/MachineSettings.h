#pragma once
// The machine settings (volumes, the machine name, the view settings)
// through the input service: text values by name. Main thread only.

#include <string>

// The stored text; empty when the value is not stored or there is no input
// service.
std::string StoredSetting(const char* name);
// Stores the text; a value that cannot be stored says so on stderr and holds
// for this run only.
void StoreSetting(const char* name, const std::string& value);
// A fraction as the settings keep it: "%f".
std::string FractionText(float value);
