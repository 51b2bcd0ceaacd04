#pragma once

#include <QString>

// Replaces every |, " and ' in text, and every control character, by a space (the caller's variable keeps
// that, untrimmed) and returns it without leading and trailing spaces. Applied to names before they are
// stored or looked up.
QString CleanText(QString& text);
// CleanText of a copy: a typed or received name as it is stored and looked up.
QString cleanedName(QString name);
