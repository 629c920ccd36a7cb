#include "engine/services/CharSet.h"

CharSet currentCharSet = CHARSET_DEFAULT;
