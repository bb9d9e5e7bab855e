// "config.txt" of arbitrary bytes, read through the command-line parameters
// as at start-up. An existing file is never written: it must come out as it went in.
#include "FuzzScratch.h"

#include "framework/app/CmdLineParams.h"
#include "framework/app/ConfigFile.h"
#include "framework/app/GameFlags.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string path = FuzzScratch::get().settingsFolder() + "/config.txt";
  FuzzScratch::writeFile(path, data, size);
  {
    CmdLineParams params({});
    GameFlags values;
    GameFlags::registerWith(params, &values);
    params.handleParameters();
    // "help" is never taken from the file.
    if (values.helpCount != 0) fuzzFailure("help taken from config.txt");
    ConfigFile config(params);
    if (!config.existed()) fuzzFailure("config.txt not seen");
    for (const CmdLineParams::ParameterCallback &parameter : params.getParameters())
      config.getParameterValue(parameter.shortForm);
  }
  if (FuzzScratch::readFile(path) != std::vector<uint8_t>(data, data + size)) fuzzFailure("config.txt changed");
  return 0;
}
