#pragma once
// qireq-ctl is a command line over the engine of src/fleet: its sessions,
// verified writes and parallel runs, named here as the tool's own.
#include "fleet/EqText.h"
#include "fleet/ParallelRun.h"
#include "fleet/UnitResult.h"
#include "fleet/UnitSession.h"
#include "fleet/UnitTarget.h"
#include "fleet/VerifiedWrite.h"
#include "fleet/WriteCheck.h"

namespace qireq::ctl {

using fleet::BandDifference;
using fleet::BandJson;
using fleet::BandLine;
using fleet::BlockDifference;
using fleet::BypassDifference;
using fleet::EqJson;
using fleet::GainDbText;
using fleet::kBlockSettleMs;
using fleet::kUnitTcpPort;
using fleet::ParseTcpTarget;
using fleet::RecordOf;
using fleet::RunOnUnits;
using fleet::SerialOpenMessage;
using fleet::TcpFailureMessage;
using fleet::TrimDifference;
using fleet::UnitBand;
using fleet::UnitBandOf;
using fleet::UnitJob;
using fleet::UnitResult;
using fleet::UnitSession;
using fleet::UnitTarget;
using fleet::WriteBlockVerified;
using fleet::WriteVerified;
using fleet::EchoCheck;
using fleet::ReadBackCheck;

}  // namespace qireq::ctl
