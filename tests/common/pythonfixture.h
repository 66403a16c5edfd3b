#pragma once

// The interpreter that a test's widgets call into, started as the host
// starts it: in initTestCase, and ended in cleanupTestCase.
namespace PythonFixture {

// Starts the interpreter; false when it did not start.
bool start();
void stop();

// No Python error is pending, and the next evaluation in the main module
// works and leaves none pending.
bool usable();

} // namespace PythonFixture
