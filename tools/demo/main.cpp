// The demo behind `make run`:
//   dopliki_demo build OLD_DIR OLD_YEAR NEW_DIR NEW_YEAR
//       makes the pair of installations anew;
//   dopliki_demo drive EXE FOLDER NEW_DIR NEW_YEAR
//       drives the exe under Wine on the display with keystrokes and saves
//       screenshots into FOLDER (for a display where nobody watches);
//   dopliki_demo shots EXE FOLDER
//       the same drive for its screenshots alone (the guide's pictures), on
//       installations made beforehand (cmake/demo-session.sh);
//   dopliki_demo report NEW_DIR NEW_YEAR LOG
//       prints the saved log and the opening inventories that changed.
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

#include "demo/demo_drive.h"
#include "demo/demo_installations.h"

namespace {

int Usage() {
  std::cerr << "usage: dopliki_demo build OLD_DIR OLD_YEAR NEW_DIR NEW_YEAR\n"
               "       dopliki_demo drive EXE FOLDER NEW_DIR NEW_YEAR\n"
               "       dopliki_demo shots EXE FOLDER\n"
               "       dopliki_demo report NEW_DIR NEW_YEAR LOG\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view command = argc > 1 ? argv[1] : "";
  try {
    if (command == "build" && argc == 6) {
      demo::Build({argv[2], std::stoi(argv[3])}, {argv[4], std::stoi(argv[5])});
      return 0;
    }
    if (command == "drive" && argc == 6) {
      const demo::Installation now{argv[4], std::stoi(argv[5])};
      return demo::Drive(argv[2], argv[3], now, std::cout) ? 0 : 1;
    }
    if (command == "shots" && argc == 4) {
      return demo::Drive(argv[2], argv[3], std::nullopt, std::cout) ? 0 : 1;
    }
    if (command == "report" && argc == 5) {
      demo::Report({argv[2], std::stoi(argv[3])}, argv[4], std::cout);
      return 0;
    }
  } catch (const std::exception& failure) {
    std::cerr << "dopliki_demo: " << failure.what() << "\n";
    return 1;
  }
  return Usage();
}
