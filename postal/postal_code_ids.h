// Number of the postal code table among the program's RCDATA resources.
// Included by the resource script, so a plain #define only.
#pragma once

#define IDR_POSTAL_CODES 91
