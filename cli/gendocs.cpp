// slopecalc-docs MANPAGE COMPLETION DATE GUIDE: writes slopecalc's manual page and its bash
// completion from the tables that `slopecalc --help` prints, so that neither can drift from the
// program, and the user's guide the windows show under 帮助, for the package.

#include "cli/docs.h"
#include "report/guide.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {

bool write(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    file.close();
    if (!file) {
        std::cerr << "slopecalc-docs: cannot write " << path << "\n";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 5) {
        std::cerr << "usage: slopecalc-docs MANPAGE COMPLETION DATE GUIDE\n";
        return 2;
    }
    return write(argv[1], manualPage(argv[3])) && write(argv[2], completion()) &&
                   write(argv[4], userGuide(SLOPE_VERSION))
               ? 0
               : 1;
}
