// Linked into every test program: each test starts with what a fresh process
// has, so that a run of the whole program in one process gives what ctest's
// one process per test gives. Parameters a test set (a page size, a message
// unit, a resolution), the warning budget and a recording driver end with the
// test. What the library keeps from one session to the next is not touched:
// that is the library's to get right, and the tests that draw twice in one
// process see it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "foundation/registry.hpp"
#include "foundation/report_context.hpp"
#include "workstation/driver_port.hpp"

namespace {

class FreshState : public testing::EmptyTestEventListener {
  void OnTestEnd(const testing::TestInfo&) override {
    zep::registry::restoreDefaults();
    zep::reports::restoreFreshDumper();
    zep::workstation::setDriverPort(nullptr);
  }
};

// ZEPTEST_KEEP_STATE=1 leaves each test what the one before left behind, to
// find the tests that lean on one another.
[[maybe_unused]] const bool installed = [] {
  if (std::getenv("ZEPTEST_KEEP_STATE") == nullptr)
    testing::UnitTest::GetInstance()->listeners().Append(new FreshState);
  return true;
}();

}  // namespace
