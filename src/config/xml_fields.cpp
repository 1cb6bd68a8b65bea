#include "config/xml_fields.h"

std::wstring CurrentText(const xml::XmlReader& reader)
{
    return reader.GetElementText(reader.CurrentIndex());
}

void ReadNextSibling(xml::XmlReader& reader, const wchar_t* name, std::wstring& field)
{
    if (reader.FindElement(name))
        field = CurrentText(reader);
}

void ReadNextSibling(xml::XmlReader& reader, const wchar_t* name, std::optional<std::wstring>& field)
{
    if (reader.FindElement(name))
        field = CurrentText(reader);
}

void ReadNextChild(xml::XmlReader& reader, const wchar_t* name, std::wstring& field)
{
    if (reader.FindChildElement(name))
        field = reader.GetChildText();
}

void ReadNextChild(xml::XmlReader& reader, const wchar_t* name, std::optional<std::wstring>& field)
{
    if (reader.FindChildElement(name))
        field = reader.GetChildText();
}
