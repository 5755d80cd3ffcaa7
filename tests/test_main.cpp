// Test main for tests without Qt. The C library takes its locale from the environment, as
// QApplication makes it do in the program, so a run under LC_ALL=de_DE.UTF-8 meets the
// decimal comma a German desktop has.
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
