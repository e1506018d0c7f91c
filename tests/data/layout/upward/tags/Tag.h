#pragma once
// A tag header that reaches up into the collection.
#include "collection/Album.h"
