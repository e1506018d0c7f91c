#pragma once
#include "gui/shell/Window.h"
