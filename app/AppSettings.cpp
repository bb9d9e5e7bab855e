#include "app/AppSettings.h"

const std::wstring AppSettings::applicationName = L"Murmel Worlds";
const std::wstring AppSettings::applicationVersion = L"1.00";

void AppSettings::cmdLineParameterFound(const std::wstring &name, const std::wstring &value) {
  parameterValues.insert(std::make_pair(name, value));
}
