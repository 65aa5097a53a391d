#include <gtest/gtest.h>

#include <regex>

#include "platform/device_id.h"
#include "support/temp_home.h"

namespace examora {
namespace {

const std::regex kUpperUuid("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");

class DeviceIdTest : public TempHomeTest {
  protected:
    std::optional<std::string> idFor(const std::string& machineId) {
        std::string path = home_.path() + "/machine-id";
        TempHome::writeFile(path, machineId);
        DeviceId::setMachineIdPath(path);
        return DeviceId::identifierForVendor();
    }
};

TEST_F(DeviceIdTest, VendorIdentifierIsAStableDigestOfTheMachineId) {
    const std::string machine = "0123456789abcdef0123456789abcdef";
    std::optional<std::string> id = idFor(machine + "\n");
    ASSERT_TRUE(id.has_value());
    EXPECT_TRUE(std::regex_match(*id, kUpperUuid)) << *id;
    EXPECT_EQ(idFor(machine), id);  // the trailing newline of the file plays no part
    EXPECT_EQ(DeviceId::identifierForVendor(), id);

    // Neither the machine id itself nor the same value for another machine.
    std::string raw = machine;
    for (char& c : raw)
        c = static_cast<char>(std::toupper(c));
    EXPECT_EQ(id->find(raw.substr(0, 8)), std::string::npos);
    EXPECT_NE(idFor("fedcba9876543210fedcba9876543210"), id);
}

TEST_F(DeviceIdTest, NoMachineIdGivesNoVendorIdentifier) {
    for (const char* content : {"", "  \n", "uninitialized\n"})
        EXPECT_EQ(idFor(content), std::nullopt) << content;
    DeviceId::setMachineIdPath(home_.path() + "/absent");
    EXPECT_EQ(DeviceId::identifierForVendor(), std::nullopt);
}

}  // namespace
}  // namespace examora
