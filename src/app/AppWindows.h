// Program-wide references to the one instance of each window, and their creation at start-up.
#pragma once

class Form;
class TdspMain;
class TdspAbout;
class TdspConfig;
class TdspGroupConfig;
class TdspScriptConfig;
class TdspGroupAdd;
class TdspAcadTest;
class TdspSDIExp;
class TdspScriptAdd;
class TdspScriptEditer;

// Each is null until start-up has created it, then lives until the program ends.
extern TdspMain* dspMain;
extern TdspAbout* dspAbout;
extern TdspConfig* dspConfig;
extern TdspGroupConfig* dspGroupConfig;
extern TdspScriptConfig* dspScriptConfig;
extern TdspGroupAdd* dspGroupAdd;
extern TdspAcadTest* dspAcadTest;
extern TdspSDIExp* dspSDIExp;
extern TdspScriptAdd* dspScriptAdd;
extern TdspScriptEditer* dspScriptEditer;

// The windows in their creation order.
enum class AppWindow { Main, About, Config, GroupConfig, ScriptConfig, GroupAdd, AcadTest, SDIExp, ScriptAdd, ScriptEditer };

// Creates every window of the program once, in the order above, all hidden; the first becomes the main form.
void appWindowsCreate();

// A created window as a form (nullptr when that window is not part of the program yet). Lets a window open
// another without knowing its class.
Form* appWindowForm(AppWindow window);

// Shows a window modally when it exists; mrNone otherwise.
int appWindowShowModal(AppWindow window);
