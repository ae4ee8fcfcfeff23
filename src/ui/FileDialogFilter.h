// The file dialogs' filters from the string table's "text|patterns|" lists.
#pragma once

#include <QString>

// "text|patterns|text|patterns||" in Qt's form: "text (pattern pattern)" joined by ";;", the
// list ending at its first empty text; "*.*" becomes "*".
QString FileDialogFilter(const QString& list);
