// Resource ids of the console. console.rc names them; the code uses the names.
#pragma once
