// imlImages: the pictures of the component and program-group lists. The first is the lists'
// own (a folder); then one per component whose picture file came with the setup.
#pragma once

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "package/SetupDescription.h"
#include "package/SetupVariables.h"

namespace vnt {

class TComponentImages {
public:
  TComponentImages();
  ~TComponentImages();
  TComponentImages(const TComponentImages&) = delete;
  TComponentImages& operator=(const TComponentImages&) = delete;

  // Adds the picture of each component whose picture file (expanded) is in the folder,
  // masked with the colour of its bottom-left pixel. A file that is no readable bitmap
  // gives the component no picture.
  void Load(const std::vector<TInstallerComponent>& components, TSetupVariables& vars, const std::string& folder);
  HIMAGELIST Handle() const { return List; }
  // The component's picture, or -1.
  int32_t IndexOf(const std::string& component) const;

  // The pictures' side: 16 pixels at 96 DPI, more on a finer screen.
  static int Size();

private:
  bool AddPicture(const std::string& path);

  HIMAGELIST List = nullptr;
  std::vector<std::pair<std::string, int32_t>> Indexes;
};

}  // namespace vnt
