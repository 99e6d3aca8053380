#pragma once
// The model inputs of the command line and the window beside workbooks and documents: one or
// more .sql scripts (read as one), or one database URI read from its catalog.
#include "exchange/DdlReader.h"
#include "exchange/ModelSource.h"

#include <QString>
#include <QStringList>

struct RepositoryUri;

namespace ModelInput {

struct Request
{
    QStringList inputs;                                           // .sql files, or one URI
    QStringList schemas;                                          // catalogs only
    QString tables;                                               // catalogs only, SQL LIKE
    ModelSource::Dialect dialect = ModelSource::Dialect::Unknown; // DDL: instead of the guess
};

// Any input is a .sql file or a database URI.
bool IsModelInput(const QStringList& inputs);
// What makes the request unusable as given (a usage error); empty when it is fine.
QString UsageProblem(const Request& request);
// Reads the model with the progress window (cancellable); false with the message. The
// password of a URI is never part of a message.
// Scripts with tables: their columns go there, not into the list (DdlReader::Read).
bool Read(const Request& request, ModelSource::AttributeList& list, QString& error,
          DdlReader::Tables* tables = nullptr);
// A catalog over a connection already described (a saved profile of the window).
bool ReadCatalog(const RepositoryUri& uri, const QStringList& schemas, const QString& tables,
                 ModelSource::AttributeList& list, QString& error);
// The name the reports give the input: the script's file name(s), or the URI without password.
QString DisplayName(const Request& request);

} // namespace ModelInput
