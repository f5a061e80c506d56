// The framework entry: WinMain hands over to AppMain, which opens the
// framework log, creates, runs and destroys the application object.
//
// The application supplies AppClassRecord (its AApp subclass) and AppLogName
// (the framework log's name in the temporary folder; null or "" for none).
// The log survives only a run ended by a fatal error report. The result is
// the WM_QUIT code of the run: 0 for a normal quit or when another copy was
// brought forward instead, 1 when an error ended the start or the run.
#pragma once

class AClass;

extern const AClass* AppClassRecord;  // defined by the application
extern const char* AppLogName;        // defined by the application
extern void* AppInstanceHandle;       // HINSTANCE, set by WinMain

int AppMain(void* instance, const char* commandLine, int showCommand);
int AppMainBody(void* instance, const char* commandLine, int showCommand);
// Each of these reports an error it catches (ReportError, or "Unhandled
// Exception" for any other exception) and lets the sequence go on.
void CreateApplication();
int RunApplication(void* instance, const char* commandLine, int showCommand);
void ShutdownApplication();
// The application object from AppClassRecord's factory; a missing class
// record or a second object is an assertion, a null or foreign object a memory error.
class AApp* NewApplicationObject();
