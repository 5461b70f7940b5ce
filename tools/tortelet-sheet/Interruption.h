#pragma once

namespace tools {

// Makes every signal that would end the program (and that can be caught) remove the temporary file
// of a write under way before the program ends as the signal would end it, so that an interrupted
// command leaves no temporary file behind: SIGINT, SIGTERM and SIGHUP, but also SIGQUIT, SIGPIPE, a
// file size limit's SIGXFSZ, SIGALRM, the user and real-time signals, and a crash.
void removeUnfinishedFilesWhenInterrupted();

}  // namespace tools
