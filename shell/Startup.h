#pragma once

class TfrmDMcarsales;

// Process-wide settings made once at start, before any window: Qt's own
// Chinese texts (standard buttons read "是", "否", "取消", "确定").
namespace Startup {

// False when the translation file could not be loaded.
bool installChineseTranslations();

// Tells the user what became of the database file when the data module was
// made: a new one was created (information naming its full path), or it
// cannot be used (an error naming it). False in the second case: the program
// must end then, since every action would fail on that file.
bool announceDatabase(const TfrmDMcarsales &dataModule);

} // namespace Startup
