#pragma once
// Writes files.
