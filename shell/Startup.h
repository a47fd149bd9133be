#pragma once

// Process-wide settings made once at start, before any window: Qt's own
// Chinese texts (standard buttons read "是", "否", "取消", "确定").
namespace Startup {

// False when the translation file could not be loaded.
bool installChineseTranslations();

} // namespace Startup
