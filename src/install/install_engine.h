// The installation engine: what an installation does, in which order, and
// how its progress is measured. The logic works on plain data; the platform
// layer (worker, Windows Installer call, processes, registry) drives it.
//
// Contents of install/:
//   work_item             WorkItem, one entry of the work list
//   work_list             BuildWorkList: items, weights 40/50/5/5, the
//                         transform path
//   install_progress      PipelinePhase, InstallProgress, weight
//                         normalisation, OverallPercent, the ReportProgress
//                         rule, cancel and the final phase
//   prerequisite_rules    the prerequisite table and its detection rules on
//                         registry values
//   prerequisite_check    IsPrerequisitePresent: the rules against the
//                         registry
//   install_properties    the property string of the main package
//   installer_result      Windows Installer call settings, success codes,
//                         the failure trace
//   installer_messages    the external handler's answers, progress counters
//                         and the home-page address
//   process_command_line  command lines of prerequisite and language-pack
//                         processes
//   installer_exit_codes  what an installer's exit code means: success,
//                         success with a restart, busy, failure
//
// The platform layer:
//   shared_progress       the process-wide InstallProgress under its lock:
//                         ReportProgress, PollInstallProgress
//   install_controller    InstallController, StartPipeline, RequestCancel,
//                         the work list of the current configuration
//   pipeline_worker       the worker: version check, downloads,
//                         installations, registration, final phase
//   installer_call        InstallPackage and HandleInstallerMessage (msi.dll)
//   process_runner        RunInstallerProcess: programs and msiexec
//   busy_installer_wait   RetryWhileInstallerBusy: 1618 asked again at an
//                         interval, within a time limit, cancel honoured
//   registration          RegisterInstallation
//   running_applications  CheckRunningApplications
#pragma once

#include "install/install_controller.h"
#include "install/install_progress.h"
#include "install/install_properties.h"
#include "install/busy_installer_wait.h"
#include "install/installer_call.h"
#include "install/installer_exit_codes.h"
#include "install/installer_messages.h"
#include "install/installer_result.h"
#include "install/prerequisite_check.h"
#include "install/prerequisite_rules.h"
#include "install/process_command_line.h"
#include "install/process_runner.h"
#include "install/registration.h"
#include "install/running_applications.h"
#include "install/shared_progress.h"
#include "install/work_item.h"
#include "install/work_list.h"
