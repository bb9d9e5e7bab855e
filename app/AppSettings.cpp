#include "app/AppSettings.h"

const std::wstring AppSettings::applicationName = L"Murmel Worlds";
const std::wstring AppSettings::applicationVersion = L"1.00";
