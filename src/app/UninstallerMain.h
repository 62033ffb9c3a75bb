// The uninstaller's run: started by the Add/Remove Programs entry with the path of a product's
// uninstall record and the entry's name, it asks once and then removes the whole product.
//   vntuninst.exe <uninst.dat> [<entry name>]
// /SILENT, /VERYSILENT, /SUPPRESSMSGBOXES and /LOG as for the setup: no question, shared
// files kept. Exit codes: 0 removed, 1 no usable record (or the usage shown), 2 the user kept the
// product, 4 items were left (the record and the entry stay for another run), 3010 items in
// use go when Windows restarts. A setup of the product that never finished is undone first
// (its journal beside the record).
#pragma once

namespace vnt {

// The whole run from the program's command line; answers the exit code. The caller has
// limited where libraries are looked for.
int RunUninstallerProgram();

}  // namespace vnt
