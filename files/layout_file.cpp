#include "files/data_files.h"
// Placeholder until the layout file is filled in.
int write_layout_file(WindowHandle, const char16_t*, int) { return 0; }
void read_layout_line(const char16_t*) {}
