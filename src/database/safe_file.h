// The database uses the programs' one safe file replacement (common/safe_file.h) under its own names.
#pragma once

#include "common/safe_file.h"

namespace cel::database {

using cel::FileChangedError;
using cel::FileError;
using cel::FileIdentity;
using cel::IdentityOf;
using cel::ReadWholeFile;
using cel::SafeFileWriter;
using cel::WriteFileSafely;

} // namespace cel::database
