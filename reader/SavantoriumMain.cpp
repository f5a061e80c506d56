// The reader program: the framework's entry creates TheApp and logs to "sv.log".
#include "reader/TheApp.h"
#include "framework/app/AppMain.h"

const AClass* AppClassRecord = &TheApp::classRecord;
const char* AppLogName = "sv.log";
