// The fixture of the tests that run the built installer end to end: a copy
// of PictoraSetup.exe beside a manifest that points at the local test
// server, and the folder the product goes to when nobody chooses one,
// cleared before and after each test (an uninstallation under Wine leaves
// the product's files behind when they went to a folder other than the
// package's default).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "config/installer_config.h"
#include "install/pipeline_fixture.h"
#include "support/process_helpers.h"

namespace built_installer_test {

// Where the installer puts the product when nobody chose a folder.
inline const std::wstring kDefaultFolder = L"C:\\Program Files\\ZYL Systems";

class BuiltInstallerTest : public pipeline_test::PipelineTest {
protected:
    void SetUp() override
    {
        PipelineTest::SetUp();
        testing_support::RemoveTree(kDefaultFolder);
    }
    void TearDown() override
    {
        PipelineTest::TearDown();
        testing_support::RemoveTree(kDefaultFolder);
    }

    // Serves version.xml (version 9.1.0.100) and the main package of
    // `parts` (by `packageRule` when one is given), loads `parts` as the
    // product and puts a copy of the built installer beside its manifest;
    // the copy's path. A copy that cannot be made is a test failure.
    std::wstring PrepareInstaller(const pipeline_test::TestManifest& parts = {}, const std::string& packageRule = "")
    {
        ServeText("version.xml", pipeline_test::VersionFileText("9.1.0.100", "1.0.0.0"));
        if (packageRule.empty())
            Serve(parts.mainComponentPath, parts.mainComponentPath);
        else
            ServeRule(parts.mainComponentPath, packageRule);
        LoadProduct(parts);
        const std::wstring setup = TheConfig().exeFolder + L"\\PictoraSetup.exe";
        if (!HasFatalFailure() &&
            !testing_support::CopyFileTo(testing_support::BinaryDir() + L"\\PictoraSetup.exe", setup))
            ADD_FAILURE() << "PictoraSetup.exe could not be copied";
        return setup;
    }

    // Written by the installed product beside itself when it starts (it is
    // started by the desktop shell, so it does not share this test's
    // environment and its record file).
    static std::wstring LaunchedRecord() { return kDefaultFolder + L"\\launched.txt"; }

    // Whether the installed product leaves that record within 20 s (it is
    // started without waiting for it).
    static bool ProductStarted()
    {
        for (int i = 0; i < 200; ++i, Sleep(100))
            if (testing_support::FileExists(LaunchedRecord()))
                return true;
        return false;
    }
};

}  // namespace built_installer_test
