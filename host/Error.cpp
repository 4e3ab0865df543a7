#include "host/Error.h"

#include "host/Application.h"

namespace host {

std::wstring StandardDescription(long number) {
    switch (number) {
    case 5: return L"Invalid procedure call or argument";
    case 6: return L"Overflow";
    case 7: return L"Out of memory";
    case 9: return L"Subscript out of range";
    case 13: return L"Type mismatch";
    case 52: return L"Bad file name or number";
    case 53: return L"File not found";
    case 91: return L"Object variable or With block variable not set";
    case 380: return L"Invalid property value";
    case 381: return L"Invalid property array index";
    case 382: return L"Set not supported at runtime";
    case 383: return L"Set not supported (read-only property)";
    case 438: return L"Object doesn't support this property or method";
    case 460: return L"Invalid Clipboard format";
    case 461: return L"Specified format doesn't match format of data";
    case 672: return L"DataObject formats list may not be cleared or expanded outside of the OLEStartDrag event";
    case 674: return L"Illegal recursive invocation of OLE drag and drop";
    default: return L"Application-defined or object-defined error";
    }
}

void Raise(long number) { throw Error(number, StandardDescription(number), App().ProjectName()); }

void Raise(long number, std::wstring description) { throw Error(number, std::move(description), App().ProjectName()); }

}  // namespace host
