#include <gtest/gtest.h>

#include <string>

#include "xml/declared_encoding.h"

namespace {

TEST(DeclaredEncoding, FromTheXmlDeclarationOrHtmlMeta) {
    struct Case {
        const wchar_t* text;
        const wchar_t* encoding;
    } cases[] = {
        {L"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r/>", L"ISO-8859-1"},
        {L"<?XML Version='1.0' ENCODING='Shift_JIS'?>", L"Shift_JIS"},
        {L"<?xml encoding = utf8?>", L"utf8"},
        {L"<?xml version=\"1.0\"?><r/>", L""},
        {L"<?xml encoding=\"utf-8", L""},                // cut off
        {L" <?xml encoding=\"utf-8\"?><r/>", L""},       // not at the start
        {L"<?xml-stylesheet encoding=\"x\"?><r/>", L""},  // another name
        {L"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">",
         L"windows-1252"},
        {L"<!DOCTYPE html><HTML><HEAD><META HTTP-EQUIV='content-type' "
         L"CONTENT='text/html;CHARSET=UTF-8'/></HEAD>",
         L"UTF-8"},
        {L"<?php ?><html><title>x</title><meta content=\"charset=a\" http-equiv=\"Content-Type\">",
         L"a"},
        {L"<html><!-- <meta http-equiv=\"Content-Type\" content=\"charset=c\"> -->"
         L"<meta name=\"x\" content=\"charset=b\">"
         L"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=d; x=y\">",
         L"d"},
        {L"<html><meta http-equiv=\"Content-Type\" content=\"text/html; charset=e/f\">", L"e"},
        {L"<html><meta http-equiv=\"Content-Type\">"
         L"<meta http-equiv=\"Content-Type\" content=\"charset=g\">",
         L""},  // the first one has no content
        {L"<html><meta http-equiv=\"Content-Type\" content=\"text/html\">", L""},
        {L"<html><head></head><meta http-equiv=\"Content-Type\" content=\"charset=h\">", L""},
        {L"<r><meta http-equiv=\"Content-Type\" content=\"charset=i\"></r>", L""},
        {L"<html>< bad><meta http-equiv=\"Content-Type\" content=\"charset=j\">", L""},
        {L"", L""},
        {L"plain text", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text, c.text + std::wcslen(c.text)));
        EXPECT_EQ(xml::GetDeclaredEncoding(c.text), c.encoding);
    }
}

}  // namespace
