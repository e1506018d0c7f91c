#pragma once
// Paths, and (wrongly) the writer for convenience.
#include "core/Writer.h"
