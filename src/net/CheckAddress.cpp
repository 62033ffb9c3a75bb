#include "net/CheckAddress.h"

#include "net/HttpAddress.h"

namespace vnt {

std::string CheckConnectionAddress(const std::optional<std::string>& fromEnvironment) {
  return fromEnvironment && !fromEnvironment->empty() ? *fromEnvironment : BuiltInCheckAddress;
}

std::string LoggedAddress(const std::string& address) {
  std::optional<THttpAddress> parsed = ParseHttpAddress(SpacesAsPercent20(address));
  return parsed ? parsed->Text() : "(not an http or https address)";
}

}  // namespace vnt
