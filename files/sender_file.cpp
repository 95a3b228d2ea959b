#include "files/data_files.h"
// Placeholder until the sender file is filled in.
int write_sender_file(WindowHandle, const char16_t*, int) { return 0; }
void read_sender_line(const char16_t*) {}
