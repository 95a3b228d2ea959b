#include "print/paper_names.h"

#include "model/text.h"

namespace {

struct PaperName {
    int code;
    const char16_t* name;
};

constexpr PaperName kNames[] = {
    {1, u"8.5×11"},    {3, u"11×17"},     {5, u"8.5×14"},       {6, u"5.5×8.5"},
    {7, u"7.25×10.5"}, {8, u"A3"},        {9, u"A4"},           {11, u"A5"},
    {12, u"B4"},       {13, u"B5"},       {14, u"8.5×13"},      {43, u"はがき"},
    {44, u"9×11"},     {45, u"10×11"},    {66, u"A2"},          {70, u"A6"},
    {73, u"封筒長形３号"}, {82, u"往復はがき"}, {88, u"B6"},        {122, u"4×6"},
    {123, u"SRA3"},    {124, u"5×7"},     {125, u"8.46×12.4"},  {126, u"8×10"},
    {127, u"11×15"},   {128, u"12×18"},   {129, u"十六開"},      {130, u"八開"},
    {131, u"表紙A4"},
};

}  // namespace

const char16_t* paper_name(int code) {
    for (const PaperName& p : kNames)
        if (p.code == code) return p.name;
    return u"不明";
}

void paper_name(int code, char16_t* out, int cap) { text_copy(out, cap, paper_name(code)); }
