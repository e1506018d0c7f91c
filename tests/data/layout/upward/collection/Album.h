#pragma once
#include "tags/Tag.h"
