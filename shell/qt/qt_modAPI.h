#pragma once

#include <QString>

#include "browse_flags.h"

class QWidget;

// The folder chooser and the small platform routines it relies on, as one procedure module: a
// Qt dialog on this platform.
namespace quillbeam::modAPI {

// Lets the user choose a folder in a dialog modal to `owner` and titled `title`. An existing
// `startFolder` is selected when the dialog opens. Returns the chosen folder's full path, or the
// empty text when the user cancels.
QString ChooseFolder(QWidget* owner, const QString& title, const QString& startFolder,
                     const ChooserSwitches& switches);

// Yes when `path` names an existing file or folder. The empty text never exists.
bool PathExists(const QString& path);

}  // namespace quillbeam::modAPI
