#pragma once

#include <CLI/CLI.hpp>

// An option check that rejects what ParseWholeDecimal rejects, so that a bad
// number is a usage error before any file is touched, and stores the number
// it accepts in `value`, which must outlive the parse.
CLI::Validator NumberArgument(double& value);
