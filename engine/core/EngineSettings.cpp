#include "engine/core/EngineSettings.h"

EngineSettings engineSettings;
