#pragma once
// Fixture for tests that need the demo standard in a repository the program is connected to,
// once per dialect. Settings start fresh; the demo publishes no proposal pages, so words and
// domains are registered directly.
#include "repository/RepoTestDb.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryInit.h"
#include "settings/AnalyzeSettings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

class DemoRepositoryTest : public ::testing::TestWithParam<TestDialect>
{
protected:
    // A derived SetUp calls this first and returns when IsSkipped() or HasFatalFailure().
    void SetUp() override
    {
        OPEN_TEST_REPOSITORY(repo, GetParam());
        RepositoryInitSummary summary;
        QString error;
        ASSERT_TRUE(LoadDemoStandard(repo.Db(), summary, error)) << error.toStdString();
        CAnalyzeSettings::DestroyInstance();
        ASSERT_TRUE(CRepositoryConnection::Instance().Open(repo.Uri(), &error)) << error.toStdString();
        CRepositoryConnection::Instance().OnRepositoryConnected();
        CAnalyzeSettings::Instance().word_request = 0;
        CAnalyzeSettings::Instance().domain_request = 0;
    }
    void TearDown() override
    {
        CRepositoryConnection::Instance().OnRepositoryDisconnected();
        CAnalyzeSettings::DestroyInstance();
    }

    TempDataDir data;
    TestRepository repo;
};
