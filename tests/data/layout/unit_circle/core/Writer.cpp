#include "core/Writer.h"

#include "core/Paths.h"  // closes the circle through the .cpp
