#include "app/CConApp.h"

#include <exception>
#include <string>

#include "app/CConsoleOutput.h"
#include "app/CFrontEnd.h"
#include "platform/Faults.h"
#include "platform/ModulePath.h"
#include "value/CTextError.h"

namespace {

constexpr int kFailure = -1;

}  // namespace

int CConApp::RunReported(const std::function<int()>& frontEnd) {
    try {
        return frontEnd();
    } catch (const std::exception& error) {
        WriteErrorLine(error.what());
    } catch (const CTextError& error) {
        WriteErrorLine(error.Text());
    } catch (const CSEException& fault) {
        WriteErrorLine(fault.Text());
    } catch (const CInvPrmException&) {
        WriteErrorLine("_invalid_parameter");
    } catch (...) {
        WriteErrorLine("error");
    }
    return kFailure;
}

int CConApp::Run(int argc, const char* const* argv) {
    const CFaultHandlers faults;
    const ModuleInfo module = ReadModuleInfo();
    if (!module.error.empty()) {
        WriteErrorLine(module.error);
        return kFailure;
    }
    return RunReported([&] { return CFrontEnd().Run(argc, argv); });
}
