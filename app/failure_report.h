#pragma once

#include "file_failure.h"

class QWidget;

// Tells the user that a command failed: the failure's number and description in a message box
// captioned with the application title, modal to `owner`.
void ShowFailureReport(QWidget* owner, const quillbeam::FileFailure& failure);
