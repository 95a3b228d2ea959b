#include "files/data_files.h"
// Placeholder until the addressee file is filled in.
int write_addressee_file(WindowHandle, const char16_t*, int) { return 0; }
void read_addressee_line(const char16_t*) {}
