// The command-line tests run the program through the tests' shared runner.
#pragma once

#include "support/cli_run.h"

namespace cel::testing {

using testsupport::CliRun;
using testsupport::RunCli;
using testsupport::Shell;
using testsupport::Slurp;

} // namespace cel::testing
