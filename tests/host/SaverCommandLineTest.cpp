#include "saver/SaverCommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(SaverCommandLine, ModesAndWindowsAsWindowsWritesThem) {
    struct Case { const char* arguments; SaverMode mode; uintptr_t window; };
    const Case cases[] = {
        {"", SaverMode::Configure, 0},          {nullptr, SaverMode::Configure, 0},
        {"/s", SaverMode::Run, 0},              {"/S", SaverMode::Run, 0},
        {"-s", SaverMode::Run, 0},              {"  /s  ", SaverMode::Run, 0},
        {"/p 1234", SaverMode::Preview, 1234},  {"/P:66090", SaverMode::Preview, 66090},
        {"/p", SaverMode::Configure, 0},        {"/c", SaverMode::Configure, 0},
        {"/c:4567", SaverMode::Configure, 4567}, {"/C 89", SaverMode::Configure, 89},
        {"/a 12", SaverMode::ChangePassword, 12}, {"/x", SaverMode::Configure, 0},
        {"s", SaverMode::Configure, 0},         {"/p abc", SaverMode::Configure, 0},
    };
    for (const Case& c : cases) {
        const SaverCommand command = ParseSaverCommandLine(c.arguments);
        EXPECT_EQ(command.mode, c.mode) << (c.arguments ? c.arguments : "(null)");
        EXPECT_EQ(command.window, c.window) << (c.arguments ? c.arguments : "(null)");
    }
}

}  // namespace
