#pragma once

#include <CLI/CLI.hpp>

// An option check that rejects what ParseWholeDecimal rejects, so that a bad
// number is a usage error before any file is touched.
CLI::Validator NumberArgument();
