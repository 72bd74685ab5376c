QORVI SAMPLE CAD FILE
design: Input-Shaft-Assembly
type: assembly
format: asm
description: Input shaft, fitted
uses: Input-Shaft, Zahnrad-ü, Key-A5x5, Bearing-6204, Circlip-20, Shaft-Seal
