#include "core/ReadSource.h"

#include "core/FileSystem.h"

bool TReadSource::Exists() const { return inMemory_ || FileExists(name_); }

std::string TReadSource::ReadAll() const { return inMemory_ ? bytes_ : ReadWholeFile(name_); }
