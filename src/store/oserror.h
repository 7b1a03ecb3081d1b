// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The system's file errors as the program's messages say them: in Italian,
// whatever language the machine's C library speaks. Qt and the C library
// give these texts in English unless the machine has Italian system
// messages installed, and a message box that starts in Italian must not end
// in English.
#include <QString>

class QFileDevice;

namespace brevan {

// The text for a system error number (errno); a number outside the
// program's table gets the C library's own text.
QString systemErrorText(int err);

// The text of the error a file last met. Qt keeps it only as text, built
// from the system error number, so the text is matched back to its number.
// A text that does not come from a system error (one of Qt's own) is
// returned as it is.
QString fileErrorText(const QFileDevice &file);

} // namespace brevan
