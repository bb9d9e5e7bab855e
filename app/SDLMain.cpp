#include "app/SDLMain.h"

#include "app/CmdLineParams.h"
#include "app/CriticalSection.h"
#include "app/SDL1.2Backend/SDL1.2Application.h"
#include "app/SDL1.2Backend/SDL1.2CriticalSection.h"
#include "app/SDL1.2Backend/SDL1.2Thread.h"
#include "app/Thread.h"
#include "app/UTF8File.h"

#include <memory>

int SDL_main(int argc, char *argv[]) {
  Thread::setBackendThreadCreator(&SDL1_2Thread::creator);
  CriticalSection::setBackendCritSecCreator(&SDL1_2CriticalSection::creator);

  std::unique_ptr<SDL1_2Application> application(new SDL1_2Application());
  std::vector<std::wstring> arguments;
  for (int i = 1; i < argc; ++i) {
    std::wstring argument;
    UTF8File::charToWstring(argv[i], argument);
    arguments.push_back(argument);
  }
  int status;
  {
    CmdLineParams params(arguments);
    application->initialise(params);
    application->eventLoop();
    status = application->getExitStatus();
  }
  application.reset();
  return status;
}
