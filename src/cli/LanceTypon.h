#pragma once

namespace korv4::cli {

// `korv4-cli typon ...`: replaces the process with korv4-typon, given the same arguments, which
// then does all of the sub-command (its messages, its exit status). The PDF page it needs loads
// QtGui; the other sub-commands load QtCore only. Returns only when korv4-typon cannot be run:
// the reason is printed and the exit status returned.
int LanceTypon(int argc, char** argv);

}  // namespace korv4::cli
