// A settings record as JSON: every section under its name, every field under its own.
#pragma once

#include "device/lib/config.h"

#include <QJsonObject>

QJsonObject RecordToJson(const CConfig& config);
