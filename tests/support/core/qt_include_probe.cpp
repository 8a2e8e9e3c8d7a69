// Compiled with the core's include paths only: it must not build, which
// proves the Qt-free core cannot reach a Qt header.
#include <QString>

#include "base/Text.h"
