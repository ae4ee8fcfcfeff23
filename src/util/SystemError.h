// The system's text for an error code, as error messages and trace lines quote it.
#pragma once

#include <QString>

// strerror's text for the code without trailing line breaks, followed by " (<code>)",
// e.g. "No such file or directory (2)".
QString SystemErrorText(int code);
// The same for the calling thread's errno.
QString LastSystemErrorText();
