// Reading fields of the manifest and the version descriptor: small steps
// over the XML reader's forward-only cursor, shared by both readers.
#pragma once

#include <optional>
#include <string>

#include "xml/xml_reader.h"

// The text of the current element.
std::wstring CurrentText(const xml::XmlReader& reader);

// Moves forward to the next sibling called `name` and stores its text.
void ReadNextSibling(xml::XmlReader& reader, const wchar_t* name, std::wstring& field);
// The same for an optional field: set (to the text, possibly empty) only
// when the element is there.
void ReadNextSibling(xml::XmlReader& reader, const wchar_t* name, std::optional<std::wstring>& field);

// Moves the child position forward to the next child called `name` and
// stores its text.
void ReadNextChild(xml::XmlReader& reader, const wchar_t* name, std::wstring& field);
void ReadNextChild(xml::XmlReader& reader, const wchar_t* name, std::optional<std::wstring>& field);
