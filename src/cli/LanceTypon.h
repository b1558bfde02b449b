#pragma once

namespace korv4::cli {

// `korv4-cli typon ...`: runs korv4-typon, given the same arguments, which does all of the
// sub-command (its messages, its exit status). The PDF page it needs loads QtGui; the other
// sub-commands load QtCore only. A korv4-typon that cannot be run, cannot load its libraries or
// stops on a signal (short of memory) is said in French, with exit status 3.
int LanceTypon(int argc, char** argv);

}  // namespace korv4::cli
