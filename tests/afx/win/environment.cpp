// Every prompt of this test program goes to a PromptScript or fails the test; no real dialog
// or message box can block it.
#include "afx/win/testing.h"

#include <gtest/gtest.h>

namespace {

class PromptEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        afx::testing::SetFailureReporter([](const QString& message) { ADD_FAILURE() << message.toStdString(); });
        afx::SetPromptAnswerer(&strict);
    }
    void TearDown() override { afx::SetPromptAnswerer(nullptr); }

private:
    afx::testing::StrictPrompts strict;
};

[[maybe_unused]] ::testing::Environment* const promptEnvironment =
    ::testing::AddGlobalTestEnvironment(new PromptEnvironment);

} // namespace
