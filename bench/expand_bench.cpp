// Cost of expanding a typical caption: 200 characters, a few variables, 100 names in the table.
#include <chrono>
#include <cstdio>
#include <string>

#include "FakeBuiltins.h"
#include "RepeatedText.h"
#include "package/SetupVariables.h"

using namespace vnt;

int main() {
  TSetupDescription desc;
  desc.Properties.SoftwareName = "Bench Product";
  desc.Properties.CompanyName = "Bench Company";
  test::TFakeBuiltins builtins;
  TSetupVariables vars(desc, builtins);
  for (int i = 0; i < 100; ++i) vars.SetVariable("%Var" + std::to_string(i) + "%", "value number " + std::to_string(i));
  vars.SetVariable("%InstallDir%", "C:\\Program Files\\Bench Company\\Bench Product");

  std::string caption = "Welcome to %SoftwareName% by %CompanyName%. Setup installs into %InstallDir% and "
                        "uses %Var17% with %Var83%; press Next to continue or Cancel to leave the setup now.";
  while (caption.size() < 200) caption += " more text";
  caption.resize(200);

  const int rounds = 200000;
  size_t sink = 0;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) sink += vars.ExpandText(caption).size();
  auto ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
  std::printf("ExpandText, 200-character caption, %d names in the table: %.2f us per call (%zu)\n",
              vars.Table.Count(), ns / rounds / 1000.0, sink % 10);

  std::string plain(200, 'x');
  start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) sink += vars.ExpandText(plain).size();
  ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
  std::printf("ExpandText, 200 characters without variables: %.3f us per call\n", ns / rounds / 1000.0);

  // Values naming each other 19 times over four levels would make 1.09 MB; it stops at 1 MiB.
  vars.Table.Set("%ChainA%", test::Repeated("%ChainB%", 19));
  vars.Table.Set("%ChainB%", test::Repeated("%ChainC%", 19));
  vars.Table.Set("%ChainC%", test::Repeated("%ChainD%", 19));
  vars.Table.Set("%ChainD%", std::string(150, 'x'));
  const int chains = 20;
  start = std::chrono::steady_clock::now();
  for (int i = 0; i < chains; ++i) sink += vars.ExpandText("%ChainA%%ChainB%%ChainC%%ChainD%").size();
  ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
  std::printf("ExpandText, a chain stopped at the size limit: %.2f ms per call (%s)\n", ns / chains / 1e6,
              vars.TakeExpansionOverflow().c_str());
  return 0;
}
