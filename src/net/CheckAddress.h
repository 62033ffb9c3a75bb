// Where CheckConnection looks: a small text file a major web server has long served for
// exactly this purpose, unless the environment names another (tests use their own server).
#pragma once

#include <optional>
#include <string>

namespace vnt {

constexpr char CheckAddressVariable[] = "VANTRY_CHECK_ADDRESS";
constexpr char BuiltInCheckAddress[] = "http://www.msftconnecttest.com/connecttest.txt";

std::string CheckConnectionAddress(const std::optional<std::string>& fromEnvironment);

// The address as the log may show it: no user name or password, which it may carry.
std::string LoggedAddress(const std::string& address);

}  // namespace vnt
