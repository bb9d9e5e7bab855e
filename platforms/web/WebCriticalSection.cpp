#include "platforms/web/WebCriticalSection.h"

WebCriticalSection::WebCreator WebCriticalSection::creator;

bool WebCriticalSection::lock() {
  if (held) return false;
  held = true;
  return true;
}

boost::shared_ptr<BackendCritSec> WebCriticalSection::WebCreator::createBackendCritSec() const {
  return boost::shared_ptr<BackendCritSec>(new WebCriticalSection());
}
