#pragma once

namespace tools {

// Makes SIGINT, SIGTERM and SIGHUP remove the temporary file of a write under way before the program
// ends as the signal would end it, so that an interrupted command leaves no temporary file behind.
void removeUnfinishedFilesWhenInterrupted();

}  // namespace tools
