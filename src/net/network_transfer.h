// Network transfer: every byte the installer fetches goes through here.
//
// Contents of net/:
//   internet_session     internetHandle, downloadWriteLock, refererUrl
//   transfer_status      DownloadStatusInfo, IDownloadCallback, ICancelRequest
//   transfer_targets     IDownloadFile and IByteStream: where the bytes go
//   transfer_messages    the texts and codes of a failed step
//   request_preparation  the request shape that all transfers share
//   http_request         DownloadUrlToFile, QueryContentLength, DownloadUrlToStream
//                        (file_download.cpp holds DownloadUrlToFile)
//   download_file        OutputFile: the local file behind a download
//   cancel_request       CancelRequest over the pipeline's two events
//   download_job         CDownloadJob: announced size, file, transfer, records
//   download_paths       MakeDownloadPath, MakeLanguagePackPath
#pragma once

#include "net/cancel_request.h"
#include "net/download_file.h"
#include "net/download_job.h"
#include "net/download_paths.h"
#include "net/http_request.h"
#include "net/internet_session.h"
#include "net/transfer_status.h"
