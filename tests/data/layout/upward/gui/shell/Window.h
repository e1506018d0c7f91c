#pragma once
// The shell reaching up into the list page.
#include "gui/list/Page.h"
