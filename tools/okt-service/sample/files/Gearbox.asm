QORVI SAMPLE CAD FILE
design: Gearbox
type: assembly
format: asm
description: Two-stage spur gearbox
project: Drivetrain
Designer: M. Okafor
weight: 18.4
uses: Housing, Input-Shaft-Assembly, Output-Shaft-Assembly, Breather-Assembly, Oil-Plug, O'Brien bracket, Hex-Bolt-M6, Washer-M6, Nameplate, Gearbox-Drawing
